// From registration to a student's scores with the two programs and PostgreSQL alone: a school
// registers on the results site, publishes from its own server through the cloud page's four
// steps and prints the password slips, and a student signs in on a phone-sized browser with
// the slip's first password, is made to choose their own, sees their scores, changes the
// password and signs in with the new one.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { createServer } from 'node:net';
import { mkdirSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { startServer, openBrowser } from './harness.mjs';

let school;
let results;
let keyFolder;
let b;

// The characters first passwords are drawn from, read from the product's own definition.
function plainAlphabet() {
  const header = join(dirname(fileURLToPath(import.meta.url)), '../../auth/random_password.h');
  const [, alphabet] = readFileSync(header, 'utf8').match(/kPlainAlphabet =\s*"([^"]+)"/);
  return alphabet;
}

// A port nothing listens on now, for the results site the school server links to.
function freePort() {
  return new Promise((resolve) => {
    const probe = createServer();
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

before(async () => {
  const port = await freePort();
  school = await startServer({
    binary: process.env.ZEZIZA_CLOUD_TEST_SERVER,
    args: ['--results-site', `http://127.0.0.1:${port}/`],
  });
  const conninfo = school.output().match(/^cloud (.*)$/m)[1];
  keyFolder = mkdtempSync(join(tmpdir(), 'zeziza-results-'));
  results = await startServer({
    binary: process.env.ZEZIZA_RESULTS_BIN,
    dataDirOption: false,
    args: ['--port', String(port), '--cloud', conninfo,
           '--cookie-key-file', join(keyFolder, 'cookie.key')],
  });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await results?.stop();
  await school?.stop();
  if (keyFolder) rmSync(keyFolder, { recursive: true, force: true });
});

// Pages of a PDF as Chromium writes it: one page object each.
function pageCount(pdf) {
  return (pdf.toString('latin1').match(/\/Type\s*\/Page(?![a-zA-Z])/g) || []).length;
}

// Waits while the page timer submits the page, until the log's newest line is `last`.
async function waitForLog(page, last) {
  for (let i = 0; i < 120; i++) {
    try {
      await b.settled();
      const text = await page.inputValue('#logmemo');
      const newest = text.split('\n').filter((l) => l.includes('>>')).at(-1);
      if (newest?.endsWith(last) && !(await page.isDisabled('#rosterbutton'))) return;
    } catch {
      // the timer's submission replaced the page under us; look again
    }
    await page.waitForTimeout(500);
  }
  throw new Error('the log never ended with ' + last);
}

test('registration, publishing and a student looking up the scores', async () => {
  const { page, dialogs } = b;
  const violations = [];
  page.on('console', (m) => { if (/Content Security Policy/i.test(m.text())) violations.push(m.text()); });

  // The school server's cloud page links to the results site's registration.
  await page.goto(school.url + '/');
  await b.settled();
  await page.fill('#adminnameedit', '校长');
  await page.fill('#adminpasswordedit', 'geheim');
  await page.fill('#adminrepeatedit', 'geheim');
  await b.submitBy('#createadminbutton');
  dialogs.length = 0;
  await page.fill('#usernameedit', '校长');
  await page.fill('#passwordedit', 'geheim');
  await b.submitBy('#signinbutton');
  await b.submitBy('#navigationbar\\.uploadlink');
  const registration = await page.getAttribute('#registerlabel a', 'href');
  assert.equal(registration, results.url + '/vezav/reg');

  // Registration on the results site.
  const site = await b.browser.newPage({ viewport: { width: 390, height: 844 } });
  site.on('console', (m) => { if (/Content Security Policy/i.test(m.text())) violations.push(m.text()); });
  await site.goto(registration);
  assert.equal(await site.title(), '注册云用户');
  await site.fill('#name', '第一中学');
  await site.fill('#password', 'schoolpass');
  await site.fill('#password2', 'schoolpass');
  await Promise.all([site.waitForNavigation(), site.click('button[type=submit]')]);
  const number = (await site.textContent('#regno')).trim();
  assert.match(number, /^\d+$/);

  // Publishing from the school server with the new number.
  await page.fill('#accountedit', number);
  await page.fill('#passwordedit', 'schoolpass');
  await b.submitBy('#verifybutton');
  assert.deepEqual(dialogs, []);
  const resultLink = await page.getAttribute('#studentaddresslabel a', 'href');
  assert.equal(resultLink, `${results.url}/vezav/index.dll?dwid=${number}`);
  await b.submitBy('#preparebutton');
  await waitForLog(page, '>>梳理循环数据结束');
  await b.submitBy('#rosterbutton');
  await waitForLog(page, '>>上传学生花名册完成');
  await b.submitBy('#publishbutton');
  await waitForLog(page, '>>上报完成！');
  assert.deepEqual(dialogs, []);

  // The first passwords on slips, one per student, each class on its own.
  await b.submitBy('#slipsbutton');
  assert.equal(await page.title(), '打印查询密码单');
  await b.submitBy('#makebutton');
  assert.equal(await page.locator('.slip-class').count(), 2);
  assert.equal(await page.locator('.password-slip').count(), 3);
  const slip = await page.$$eval('.password-slip', (all) => all.map((s) => Object.fromEntries(
    [...s.querySelectorAll('p')].filter((p) => p.querySelector('.caption')).map((p) => {
      const caption = p.querySelector('.caption').textContent;
      return [caption, p.textContent.slice(caption.length)];
    }))).find((lines) => lines['考号：'] === '801'));
  assert.equal(slip['姓名：'], '张三');
  assert.equal(slip['查询地址：'], resultLink);
  const firstPassword = slip['初始密码：'];
  assert.equal(firstPassword.length, 8);
  for (const c of firstPassword) assert.ok(plainAlphabet().includes(c), `${firstPassword}: ${c}`);
  // Printed, the slips are all there is.
  await page.emulateMedia({ media: 'print' });
  const shown = await page.$$eval('body *', (all) => all.filter((e) =>
    getComputedStyle(e).display !== 'none' && e.getClientRects().length > 0 &&
    !e.closest('.password-slips') && !e.querySelector('.password-slips')).length);
  assert.equal(shown, 0);
  // Each class starts a page of its own.
  assert.equal(pageCount(await page.pdf({ preferCSSPageSize: true })), 2);
  await page.emulateMedia({ media: 'screen' });

  // A student on a phone: a wrong password first, then the slip's.
  await site.goto(resultLink);
  assert.equal(await site.title(), '第一中学 成绩查询');
  // Every box stays inside its panel on the phone.
  const sticking = await site.$$eval('form input:not([type=hidden])', (inputs) => inputs
    .filter((i) => {
      const r = i.getBoundingClientRect();
      const panel = i.closest('form').getBoundingClientRect();
      return r.width > 0 && (r.right > panel.right + 0.5 || r.left < panel.left - 0.5);
    }).map((i) => i.id));
  assert.deepEqual(sticking, []);
  await site.fill('#kh', '801');
  await site.fill('#mm', 'wrong');
  await Promise.all([site.waitForNavigation(), site.click('form:has(input[value=student]) button')]);
  assert.equal((await site.textContent('.rs-refusal')).trim(), '考号或密码错误！');
  await site.fill('#kh', '801');
  await site.fill('#mm', firstPassword);
  await Promise.all([site.waitForNavigation(), site.click('form:has(input[value=student]) button')]);
  // No result before a password of their own.
  assert.match(await site.textContent('#firstpassword'), /初始密码/);
  assert.equal(await site.locator('#scores').count(), 0);
  await site.fill('#new', 'short');
  await site.fill('#new2', 'short');
  await Promise.all([site.waitForNavigation(), site.click('form:has(input[value=firstpw]) button')]);
  assert.equal((await site.textContent('.rs-refusal')).trim(), '密码至少需要6个字符！');
  await site.fill('#new', 'mine2024');
  await site.fill('#new2', 'mine2024');
  await Promise.all([site.waitForNavigation(), site.click('form:has(input[value=firstpw]) button')]);
  assert.equal((await site.textContent('.rs-done')).trim(), '密码修改成功！');
  assert.match(await site.textContent('.rs-who'), /张三（考号 801）/);
  assert.equal((await site.textContent('#examname')).trim(), '期中');
  const rows = await site.$$eval('#scores tr', (trs) => trs.map((tr) =>
    [...tr.children].map((c) => c.textContent)));
  const bySubject = Object.fromEntries(rows.slice(1).map((r) => [r[0], r.slice(1)]));
  assert.equal(bySubject['总分'][0], '245');
  const subjects = Object.entries(bySubject).filter(([s]) => s !== '总分' && s !== '平均分');
  assert.deepEqual(subjects.map(([, r]) => r[0]).sort(), ['70', '85', '90']);
  assert.ok('平均分' in bySubject);
  assert.ok(!(await site.content()).includes('李四'));
  // Fits the phone: every table reads as one block of label/value pairs per row, nothing is
  // wider than the screen and nothing scrolls sideways.
  const phone = await site.evaluate(() => {
    const tables = [...document.querySelectorAll('.rs-table')];
    const cells = tables.flatMap((t) => [...t.querySelectorAll('td')]);
    return {
      tables: tables.map((t) => t.id),
      pageFits: document.documentElement.scrollWidth <= window.innerWidth,
      tablesFit: tables.every((t) => t.getBoundingClientRect().right <= window.innerWidth &&
                                     t.parentElement.scrollWidth <= t.parentElement.clientWidth),
      headingsHidden: tables.every((t) => t.rows[0].getBoundingClientRect().height === 0),
      unlabelled: cells.filter((c) => getComputedStyle(c, '::before').content !==
                                      JSON.stringify(c.dataset.label)).map((c) => c.textContent),
      sideBySide: cells.filter((c) => {
        const row = c.parentElement;
        return c !== row.cells[0] && c.getBoundingClientRect().top === row.cells[0].getBoundingClientRect().top;
      }).length,
    };
  });
  assert.deepEqual(phone, { tables: ['scores', 'statistics'], pageFits: true, tablesFit: true,
                            headingsHidden: true, unlabelled: [], sideBySide: 0 });
  const score = await site.$eval('#scores tr:nth-child(2) td:nth-child(2)', (td) =>
    [td.dataset.label, getComputedStyle(td).display]);
  assert.deepEqual(score, ['成绩', 'flex']);
  if (process.env.ZEZIZA_SCREENSHOTS) {
    mkdirSync(process.env.ZEZIZA_SCREENSHOTS, { recursive: true });
    await site.screenshot({ path: join(process.env.ZEZIZA_SCREENSHOTS, 'results-phone.png'),
                            fullPage: true });
  }

  // A new password, then signing out and in with it.
  await site.click('summary');
  await site.fill('#old', 'mine2024');
  await site.fill('#new', 'mynewpass');
  await site.fill('#new2', 'mynewpass');
  await Promise.all([site.waitForNavigation(), site.click('form:has(input[value=password]) button')]);
  assert.equal((await site.textContent('.rs-done')).trim(), '密码修改成功！');
  await Promise.all([site.waitForNavigation(), site.click('form.rs-inline button')]);
  await site.fill('#kh', '801');
  await site.fill('#mm', 'mynewpass');
  await Promise.all([site.waitForNavigation(), site.click('form:has(input[value=student]) button')]);
  assert.match(await site.textContent('.rs-who'), /张三/);

  // The school's view on a wide screen takes the window's width; its rates are percentages
  // headed 分段, as the school server counted them, with what that means beside them.
  const wide = await b.browser.newPage({ viewport: { width: 1920, height: 1080 } });
  await wide.goto(resultLink);
  await wide.click('summary');
  await wide.fill('#bh', number);
  await wide.fill('#smm', 'schoolpass');
  await Promise.all([wide.waitForNavigation(), wide.click('form:has(input[value=school]) button')]);
  const view = await wide.evaluate(() => ({
    width: Math.round(document.querySelector('.rs-page').getBoundingClientRect().width),
    headings: [...document.querySelectorAll('#statistics th')].map((th) => th.textContent).slice(8),
    rates: [...document.querySelectorAll('#statistics tr:nth-child(2) td')].slice(8)
      .map((td) => /^\d+(\.\d+)?%$/.test(td.textContent)),
    note: document.querySelector('#ratenote')?.textContent ?? '',
  }));
  assert.ok(view.width >= 1500, `the school's view is ${view.width} px wide`);
  assert.deepEqual(view.headings, ['优秀率', '良好率(分段)', '及格率(分段)']);
  assert.deepEqual(view.rates, [true, true, true]);
  assert.match(view.note, /^分段：/);
  if (process.env.ZEZIZA_SCREENSHOTS) {
    await wide.screenshot({ path: join(process.env.ZEZIZA_SCREENSHOTS, 'results-school-1920.png'),
                            fullPage: true });
  }
  await wide.close();
  assert.deepEqual(violations, []);
});
