// The analysis pages in a real browser: the chart drawn as bars with its legend, the table
// sorted and filtered in the browser, a ranking, and a distribution with its details panel.
// The server's start page signs in and stores six students' scores.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({ binary: process.env.ZEZIZA_ANALYSIS_SERVER });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

async function open(button, title) {
  await b.page.goto(server.url + '/');
  await b.page.waitForFunction(() => document.title === 'analysis journey');
  await b.settled();
  await b.submitBy(button);
  assert.equal(await b.page.title(), title);
}

async function cellTexts(selector) {
  return b.page.$$eval(selector, (cells) => cells.map((c) => c.textContent));
}

test('chart: one bar per student in the five colours in turn, values and legend', async () => {
  const { page, dialogs } = b;
  await open('#chart', '图表统计');
  await page.selectOption('#groupingbox', { label: '学生' });
  await b.submitBy('#analysebutton');
  assert.deepEqual(dialogs, []);
  const fills = await page.$$eval('.iw-chart svg rect.iw-bar', (bars) => bars.map((r) => r.getAttribute('fill')));
  assert.deepEqual(fills, ['#B47D4B', '#B49B52', '#839573', '#416674', '#835082', '#B47D4B']);
  assert.deepEqual(await cellTexts('.iw-chart svg text.iw-bar-value'),
                   ['93.00', '84.00', '84.00', '70.00', '67.50', '51.00']);
  const heights = await page.$$eval('.iw-chart svg rect.iw-bar', (bars) => bars.map((r) => Number(r.getAttribute('height'))));
  assert.ok(Math.abs(heights[1] / heights[0] - 84 / 93) < 1e-6);
  // A name holding markup is shown as text.
  assert.deepEqual((await cellTexts('.iw-chart svg text.iw-bar-label')).slice(0, 3),
                   ['101[张三]', '102[李四]', '103[王<b>五</b>]']);
  assert.equal(await page.locator('.iw-chart svg b').count(), 0);
  assert.equal(await page.textContent('.iw-legend-title'), '图例 - 单位');
  assert.deepEqual(await cellTexts('.iw-legend-table td.iw-legend-category'),
                   ['101[张三]', '102[李四]', '103[王<b>五</b>]', '104[赵六]', '105[钱七]', '106[孙八]']);
  const legendColour = await page.$eval('.iw-legend-table td.iw-legend-value', (td) => getComputedStyle(td).backgroundColor);
  assert.equal(legendColour, 'rgb(180, 125, 75)');
  assert.equal(await page.isVisible('.iw-dyngrid'), false);

  // Grouped by class, the units' classes of one name stay apart.
  await page.selectOption('#groupingbox', { label: '班次' });
  await page.selectOption('#columnbox', { label: '数学' });
  await b.submitBy('#analysebutton');
  assert.deepEqual(await cellTexts('.iw-chart svg text.iw-bar-value'), ['82.500', '69.000', '70.000']);
  assert.deepEqual(await cellTexts('.iw-legend-table td.iw-legend-category'),
                   ['中心校区 初一 一班', '中心校区 初一 二班', '东校区 初一 一班']);
});

test('chart table: sorted by a click on a column title, filtered by a text per column', async () => {
  const { page } = b;
  await open('#chart', '图表统计');
  await page.selectOption('#groupingbox', { label: '学生' });
  await page.selectOption('#presentationbox', { label: '表格呈现' });
  await b.submitBy('#analysebutton');
  assert.equal(await page.isVisible('.iw-chart-box'), false);
  assert.deepEqual(await cellTexts('.iw-dyngrid thead tr:first-child th'), ['单位', '数学', '语文', '整体']);
  const column = (n) => cellTexts(`.iw-dyngrid tbody tr td:nth-child(${n})`);
  assert.deepEqual(await column(4), ['93.00', '84.00', '84.00', '70.00', '67.50', '51.00']);

  await page.click('.iw-dyngrid thead tr:first-child th:nth-child(2)');  // 数学, lowest first
  assert.deepEqual(await column(2), ['50.00', '60.00', '70.00', '80.00', '88.00', '95.00']);
  await page.click('.iw-dyngrid thead tr:first-child th:nth-child(2)');  // again: highest first
  assert.deepEqual(await column(2), ['95.00', '88.00', '80.00', '70.00', '60.00', '50.00']);

  await page.fill('.iw-dyngrid .iw-filter-band th:nth-child(4) input', '84');
  assert.deepEqual(await column(1), ['102[李四]', '103[王<b>五</b>]']);
  await page.fill('.iw-dyngrid .iw-filter-band th:nth-child(1) input', '王');
  assert.deepEqual(await column(1), ['103[王<b>五</b>]']);
  await page.press('.iw-dyngrid .iw-filter-band th:nth-child(1) input', 'Enter');  // no submit
  await page.fill('.iw-dyngrid .iw-filter-band th:nth-child(1) input', '');
  await page.fill('.iw-dyngrid .iw-filter-band th:nth-child(4) input', '');
  assert.equal((await column(1)).length, 6);
  assert.equal(await page.title(), '图表统计');
});

test('ranking, reached through the navigation bar: ranks by total, average and subject', async () => {
  const { page, dialogs } = b;
  await open('#chart', '图表统计');
  await b.submitBy('[id="navigationbar.rankinglink"]');  // 【成绩排序】
  assert.equal(await page.title(), '成绩排序');
  assert.equal(await page.isVisible('#resultgrid'), false);
  await b.submitBy('#analysebutton');
  assert.deepEqual(dialogs, []);
  const row = (r) => cellTexts(`#resultgrid tr:nth-child(${r + 1}) > *`);
  assert.deepEqual(await row(0), ['序号', '考号', '姓名', '学校', '年级', '班次', '考试名称', '总分', '平均分', '数学', '语文']);
  assert.deepEqual(await row(2), ['2', '102', '李四', '中心校区', '初一', '二班', '期中', '[ 2 ] 168.00', '[ 2 ] 84', '[ 2 ] 88', '[ 3 ] 80']);
  assert.deepEqual(await row(3), ['3', '103', '王<b>五</b>', '东校区', '初一', '一班', '期中', '[ 3 ] 168.00', '[ 3 ] 84', '[ 3 ] 80', '[ 2 ] 88']);
  assert.deepEqual(await row(6), ['6', '104', '赵六', '中心校区', '初一', '一班', '期中', '[ 6 ] 70.00', '[ 4 ] 70(缺1科)', '[ 4 ] 70', '']);
});

test('distribution: top X with a tie, and the details of one class', async () => {
  const { page, dialogs } = b;
  await open('#distribution', '分布情况');
  await page.fill('#xedit', '2');
  await b.submitBy('#analysebutton');
  assert.deepEqual(dialogs.pop(), {
    type: 'alert',
    message: '分界点位置出现并列成绩，已保留并列学生，将导致符合条件人数大于要求人数！请注意查看！',
  });
  const rows = await page.$$eval('#resultgrid tr', (trs) => trs.map((tr) => [...tr.children].map((c) => c.textContent)));
  assert.deepEqual(rows, [
    ['单位', '年级', '班次', '学生人数', '详情'],
    ['中心校区', '初一', '一班', '1', '查看详情'],
    ['中心校区', '初一', '二班', '1', '查看详情'],
    ['东校区', '初一', '一班', '1', '查看详情'],
  ]);
  assert.equal(await page.isVisible('#detailspanel'), false);
  await b.submitBy('#resultgrid tr:nth-child(4) a');
  assert.equal(await page.isVisible('#detailspanel'), true);
  assert.deepEqual(await cellTexts('#detailsgrid tr:nth-child(2) td'), ['103', '王<b>五</b>', '84', '168', '80', '88']);
  await b.submitBy('#closedetailslink');
  assert.equal(await page.isVisible('#detailspanel'), false);

  await page.fill('#xedit', '0');
  await b.submitBy('#analysebutton');
  assert.deepEqual(dialogs.pop(), { type: 'alert', message: '参数错误，请设定参数后操作' });
});
